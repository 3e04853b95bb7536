// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Worksheet.h"

#include <QString>

class QPagedPaintDevice;

namespace piko {

// Prints a worksheet's pages (the problems, then the answers) on a printer or a PDF writer, at
// the places the library gives in millimetres.
void paintWorksheet(QPagedPaintDevice &device, const Worksheet &sheet);

// Writes the worksheet to a PDF file; where the file cannot be written, says why and leaves
// no file behind.
bool writeWorksheetPdf(const Worksheet &sheet, const QString &path, QString *why);

} // namespace piko
