// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

// What the program says to the pupil, word for word (the blanks inside the questions are
// ideographic spaces).
namespace piko::texts {

inline constexpr const char *kCaption = "ぴこまる01"; // every message box
inline constexpr const char *kNoLevel = "レベルをきめてから、けっていボタンをおしてください。";
inline constexpr const char *kNoAnswer = "こたえをタイプしてください。";
inline constexpr const char *kFinishQuestion = "けいさんれんしゅうは、みなさん　おわりましたか？";
inline constexpr const char *kExitQuestion = "「ぴこまる」を　終わります。";
inline constexpr const char *kInvitation = "ここをクリックしてください。";
inline constexpr const char *kRight = "○";
inline constexpr const char *kWrong = "×";

} // namespace piko::texts
