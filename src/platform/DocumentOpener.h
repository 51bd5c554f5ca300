// Opens a document with the program the desktop associates with it (the shell's "open"),
// behind a seam so that tests can record the calls.
#pragma once

#include <QString>

namespace sw::ui {

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when the desktop found no program for the file (or the file is missing).
    virtual bool Open(const QString& path) = 0;
};

class DesktopDocumentOpener : public DocumentOpener {
public:
    bool Open(const QString& path) override;
};

}  // namespace sw::ui
