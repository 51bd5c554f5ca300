// The editor opens one dropped file at a time; dropping several gets a complaint from a cycle
// of ten, each a little crosser than the last. Only words: no file is ever touched.
#pragma once

namespace sw {

inline constexpr int kDropComplaintCount = 10;

// The complaint for index 0-9.
const char* DropComplaint(int index);

// The index after `index`: 0, 1, ..., 9, 0, ...
inline int NextDropComplaint(int index) {
    return (index + 1) % kDropComplaintCount;
}

}  // namespace sw
