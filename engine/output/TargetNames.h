// Choosing where a recovered file or folder goes: names that never clash with what is there.
// Paths use "/"; a destination root ends with "/".
#pragma once

#include <string>

namespace keldrin::output {

// Creates the folder at path; while something of that name exists, tries path + "_000",
// "_001", ... and writes the name it made back into path.
bool CreateUniqueDirectory(std::string& path);

// Creates the empty file folder/name (name already made safe). When folder cannot take it (gone,
// or the path too long) the file goes straight into root; when the name is taken, a unique one is
// made. outPath receives the file created. False, logged with the error, when nothing could be.
bool CreateTargetFile(const std::string& root, const std::string& folder, const std::string& name,
                      std::string& outPath);

// Creates folder/base_NNN.ext for the first NNN from 000 to 999 that is free; 0 and outPath on
// success, else the errno of the first failure other than "exists", or EEXIST when all 1000 are.
int CreateUniqueFile(const std::string& folder, const std::string& name, std::string& outPath);

}  // namespace keldrin::output
