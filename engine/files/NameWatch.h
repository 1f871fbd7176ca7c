#pragma once
// Tells cheaply whether a file's name may have come to stand for another file. Looking the
// name up before every append costs a path walk (about 1 µs here, more than the append
// itself), and even asking the system whether anything happened costs a third of one. Instead
// the system watches each directory along the path (and along the real path, when links lie
// on it) for names created, renamed or removed (directory notification, F_NOTIFY) and, when
// one is, sends the watching thread a signal (SIGIO), whose handler counts it
// (signal_flags::nameEvents). The signal is taken when that thread next leaves the system, so
// before its next append; the caller compares the count before each append and looks the name
// up only when it moved. (inotify would do the same, but closing an inotify instance waits for
// the system to retire its watches, some milliseconds at every change of month.)
//
// Not seen: a file system mounted over a directory of the path. Where the system cannot watch
// (a directory that cannot be read, no notification there), every question answers "changed"
// and the caller looks the name up each time.

#include <string>
#include <vector>

namespace trevo {

class NameWatch {
  public:
    // Watches the directories of `nativePath` (a file's name as the system spells it).
    explicit NameWatch(const std::string& nativePath);
    NameWatch(const NameWatch&) = delete;
    NameWatch& operator=(const NameWatch&) = delete;
    ~NameWatch();

    // True when nothing was renamed or removed along the path since the last call (or since
    // the watch began).
    bool Quiet();

  private:
    std::vector<int> directoryFds_;
    bool watching_ = false;
    unsigned seen_ = 0;  // nameEvents when last asked
};

}  // namespace trevo
