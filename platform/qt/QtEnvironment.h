// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: what the Qt back end's files share of the Linux environment.
#pragma once

#include <string>

namespace platform {

// The user's temporary folder ($TMPDIR when it is an absolute path, else /tmp), without a
// trailing separator.
std::string UserTemporaryFolder();

}  // namespace platform
