// tapemoor-cli: the catalogue from a terminal. Exit status 0 success, 1 input/output error,
// 2 usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Writes the demo catalogue into `dir` through the store.
void make_demo(const std::string &dir);

}  // namespace cli
