// SPDX-License-Identifier: Apache-2.0
// JSON string literals, for everything the extension writes as JSON text.
#pragma once

#include <string>
#include <string_view>

namespace quorbitz {

enum class SlashStyle { plain, escaped };

// Appends `text` as a JSON string literal: '"' '\' and control characters
// escaped, everything else as it is. With SlashStyle::escaped every "/" is
// written as "\/", as the main application's command reader expects.
void appendJsonString(std::string& out, std::string_view text,
                      SlashStyle slashes = SlashStyle::plain);

}  // namespace quorbitz
