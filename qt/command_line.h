// SPDX-License-Identifier: MIT
// The two options every Linux program answers, --help and --version, before
// any window or display is needed. Other arguments are left alone (the
// programs ignore what they do not know).
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "ui/metadata.h"

namespace app {

// Prints the help text or the version and returns the exit status when
// --help (-h) or --version (-V) is among the arguments; the first one wins.
// Otherwise returns nothing and the program goes on.
inline std::optional<int> AnswerStandardOptions(int argc, char** argv, std::string_view usage) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      std::fwrite(usage.data(), 1, usage.size(), stdout);
      return 0;
    }
    if (arg == "--version" || arg == "-V") {
      std::printf("%s %s\n", kProductName, kDisplayVersion);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace app
