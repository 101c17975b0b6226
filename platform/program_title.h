#pragma once

namespace platform {

// The program's name: the reader window's caption, the application's display name and the title
// of the catalog builder's message boxes.
inline constexpr auto kProgramTitle = "澜舟画本编排阅读2002";

}  // namespace platform
