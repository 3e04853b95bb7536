// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

namespace piko {

// The program's look and language, set once after the QApplication exists: buttons that show
// their back colour flat with a raised edge and a focus that can be seen from a pupil's seat,
// the design fonts mapped to installed Japanese ones, and Qt's own texts in Japanese whatever
// the system's language.
void applyProgramStyle();

} // namespace piko
