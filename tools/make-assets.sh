#!/bin/sh
# Re-run: sh tools/make-assets.sh   (re-makes every asset under resources/ from the generators)
# Needs Debian's python3-pil, fonts-urw-base35, espeak-ng, sox and gifsicle; the build does not.
set -eu
cd "$(dirname "$0")/.."
/usr/bin/python3 tools/make_pictures.py
/usr/bin/python3 tools/make_sounds.py
/usr/bin/python3 tools/make_movies.py
/usr/bin/python3 tools/make_texts.py
