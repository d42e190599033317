// Why a file cannot be read or written, in the words a terminal user needs
// after the program's own message.
#pragma once

#include <string>

namespace velmora::cli {

// "not found", "a directory", "not a regular file" (a named pipe, a device),
// or the system's reason ("Permission denied"); empty when the file can be read.
std::string WhyUnreadable(const std::string& path);
// "the folder F does not exist", "F is not a folder", or the system's reason;
// empty when nothing is known to stop the write.
std::string WhyUnwritable(const std::string& path);

} // namespace velmora::cli
