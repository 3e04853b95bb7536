// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/WorksheetPrint.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace piko {

void paintWorksheet(QPagedPaintDevice &device, const Worksheet &sheet)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    const worksheet::Sheet placed = worksheet::place(sheet);
    QPainter painter(&device);
    const double dots = device.logicalDpiX() / 25.4; // per millimetre
    auto at = [dots](const worksheet::Item &i) {
        return QRectF(i.left * dots, i.top * dots, i.width * dots, i.height * dots);
    };
    for (int page = 0; page < 2 * placed.pages; ++page) {
        if (page > 0)
            device.newPage();
        for (const worksheet::Item &item : placed.items) {
            if (item.page != page)
                continue;
            switch (item.kind) {
            case worksheet::Item::Kind::Text: {
                QFont font(QString::fromUtf8(item.family));
                font.setPointSizeF(item.points);
                font.setBold(item.bold);
                painter.setFont(font);
                painter.setPen(QPen(Qt::black));
                const Qt::Alignment side = item.right ? Qt::AlignRight : Qt::AlignLeft;
                painter.drawText(
                    at(item), int(side | Qt::AlignVCenter), QString::fromStdString(item.text));
                break;
            }
            case worksheet::Item::Kind::Box:
                painter.setPen(QPen(Qt::black, 0.4 * dots));
                painter.drawRect(at(item));
                break;
            case worksheet::Item::Kind::Line:
                painter.setPen(QPen(Qt::black, 0.3 * dots));
                painter.drawLine(at(item).topLeft(), at(item).topRight());
                break;
            }
        }
    }
}

bool writeWorksheetPdf(const Worksheet &sheet, const QString &path, QString *why)
{
    // Written beside the file and put in its place only when whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *why = file.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("pikomaru"));
        pdf.setTitle(QString::fromUtf8(worksheet::operationName(sheet.operation))
            + QStringLiteral("　")
            + QString::fromUtf8(worksheet::levelCaption(sheet.operation, sheet.level))
                  .simplified());
        paintWorksheet(pdf, sheet);
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace piko
