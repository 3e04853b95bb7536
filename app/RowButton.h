// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <QAbstractButton>

namespace piko {

// The keyboard's and the screen reader's way into a problem row: a button as large as the row's
// frame that lies under the row's own controls, lets the mouse through to the drill surface, and
// shows itself only as an outline round the frame while it has the focus. Its accessible name is
// what the row shows.
class RowButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit RowButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace piko
