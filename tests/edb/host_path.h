// Build-tree paths are Unix paths; under Wine the Unix root is drive Z:.
#pragma once

#include <string>

namespace edbtest {

inline std::string host_path(std::string p) {
#ifdef _WIN32
  if (p.empty() || p[0] != '/') return p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
#else
  return p;
#endif
}

}  // namespace edbtest
