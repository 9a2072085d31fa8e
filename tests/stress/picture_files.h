// The files the stress run hands to loaders and savers: valid small pictures written here byte by
// byte, and broken ones (missing, empty, a directory, garbage, cut short, headers that lie).
#pragma once

#include <string>
#include <vector>

namespace vxl::stress {

struct FileNames {
    std::vector<std::string> all;       // every name, inputs and outputs, good and bad
    std::vector<std::string> pictures;  // names a loader accepts
    std::vector<std::string> saves;     // names a saver accepts
    std::vector<std::string> alphas;    // 8-bit pictures of 64 x 64
};

// Writes the files into the current directory (which must be empty) and names them.
FileNames WriteCorpus();

}  // namespace vxl::stress
