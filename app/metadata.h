// The program's metadata: what a version resource would carry elsewhere.
// On Linux it goes to Qt (application name and version) and, at install
// time, to the desktop entry and the AppStream file.
#pragma once

namespace app {

inline constexpr char kProductName[] = "Tressin";
inline constexpr char kVersion[] = "1.0.0.0";
inline constexpr char kVersionShown[] = "1.00";
inline constexpr char kDescription[] = "あなたの消費電力で何ができるか";
inline constexpr char kComment[] = "電気を大切にしましょう。";
inline constexpr char kLanguage[] = "ja";

}  // namespace app
