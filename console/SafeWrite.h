// Writing a file so that a failed write never destroys what it held before.
#pragma once

#include <string>

namespace roster {

// Makes `content` the whole of the text file `path`, and returns whether all
// of it arrived. A missing or regular file, also one reached through
// symbolic links, is replaced at once: the content goes into a new file in
// the same folder, is flushed to the disk and renamed onto it, so on failure
// the file stays exactly as it was; a replaced file keeps its permission
// bits. Anything else (a device, a named pipe) is written directly. Lines
// end as the platform's text files do.
bool writeFileSafely(const std::string& path, const std::string& content);

}  // namespace roster
