#include "gui/mainwindow/PaneTraceSink.h"

#include "gui/widgets/TracePane.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

void PaneTraceSink::AppendLine(std::string_view line) {
    if (lineCount_ > 0) {
        pending_ += '\n';
    }
    ++lineCount_;
    // The pane breaks lines at every CR and LF: a CR LF pair must become a single break.
    for (std::size_t start = 0;;) {
        const std::size_t crlf = line.find("\r\n", start);
        if (crlf == std::string_view::npos) {
            pending_.append(line.substr(start));
            break;
        }
        pending_.append(line.substr(start, crlf - start));
        pending_ += '\n';
        start = crlf + 2;
    }
    if (pending_.size() >= kMaxPendingBytes) {
        Flush();
    }
}

bool PaneTraceSink::Flush() {
    if (lineCount_ == 0) {
        return true;
    }
    pane_.AppendLines(QStringFromWin1250(pending_));
    pending_.clear();
    lineCount_ = 0;
    return true;
}

}  // namespace trevo::gui
