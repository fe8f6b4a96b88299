// The command line as UTF-8 texts, on every platform.
#pragma once

#include <string>
#include <vector>

namespace edbtool {

std::vector<std::string> utf8_args(int argc, char** argv);
// Makes stdout and stderr pass bytes through unchanged.
void binary_output();

}  // namespace edbtool
