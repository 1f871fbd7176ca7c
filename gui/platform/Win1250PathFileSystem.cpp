#include "platform/Win1250PathFileSystem.h"

#include <QFile>

#include "platform/Win1250Text.h"

namespace trevo::gui {

std::string LocalFileName(const std::string& win1250Path) {
    return QFile::encodeName(FromWin1250(win1250Path)).toStdString();
}

bool Win1250PathFileSystem::FileExists(const std::string& path) {
    return local_.FileExists(LocalFileName(path));
}

bool Win1250PathFileSystem::DirectoryExists(const std::string& path) {
    return local_.DirectoryExists(LocalFileName(path));
}

std::unique_ptr<RecordFile> Win1250PathFileSystem::OpenOrCreateRecordFile(const std::string& path) {
    return local_.OpenOrCreateRecordFile(LocalFileName(path));
}

std::unique_ptr<InputFile> Win1250PathFileSystem::OpenForReading(const std::string& path) {
    return local_.OpenForReading(LocalFileName(path));
}

}  // namespace trevo::gui
