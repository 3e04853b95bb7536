// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <string>

// What the program says to the pupil, word for word (the blanks inside the questions are
// ideographic spaces).
namespace piko::texts {

inline constexpr const char *kCaption = "ぴこまる01"; // every message box
inline constexpr const char *kNoLevel = "レベルをきめてから、けっていボタンをおしてください。";
inline constexpr const char *kNoLevelToPrint = "レベルをきめてから、いんさつしてください。";
inline constexpr const char *kNoAnswer = "こたえをタイプしてください。";
inline constexpr const char *kFinishQuestion = "けいさんれんしゅうは、みなさん　おわりましたか？";
inline constexpr const char *kExitQuestion = "「ぴこまる」を　終わります。";
inline constexpr const char *kInvitation = "ここをクリックしてください。";
inline constexpr const char *kRight = "○";
inline constexpr const char *kWrong = "×";
// A message box's buttons: a question's answers, and the one button of a message.
inline constexpr const char *kYes = "はい";
inline constexpr const char *kNo = "いいえ";
inline constexpr const char *kOk = "OK";

} // namespace piko::texts

// What a screen reader says for the controls whose caption says too little or that have none,
// and for a row's mark.
namespace piko::names {

inline constexpr const char *kAnswer = "こたえ";
inline constexpr const char *kRemainder = "あまり";
inline constexpr const char *kRemainderButton = "あまりを いれる";
inline constexpr const char *kErase = "けす";
inline constexpr const char *kCheck = "チェック";
inline constexpr const char *kKeypad = "すうじ";
inline constexpr const char *kSurface = "もんだい";
inline constexpr const char *kPanelAfter = "の レベル"; // after the operation's caption
inline constexpr const char *kRight = "せいかい";
inline constexpr const char *kWrong = "ちがう";

// Said after a row's controls: "（2ばんめ）".
inline std::string rowName(int row)
{
    return "（" + std::to_string(row) + "ばんめ）";
}

} // namespace piko::names
