// printf formats of the Windows run-time ("%I64d", "%I32u") rewritten for the C library.
#pragma once

#include <string>

namespace tracekeep {

// "%I64d" becomes "%lld", "%I32u" becomes "%u"; every other conversion, and "%%", stay as they are.
std::string RewriteFormat(const char* format);

}  // namespace tracekeep
