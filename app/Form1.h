// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "app/Seams.h"
#include "drill/Presenter.h"

#include <QBasicTimer>
#include <QHash>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

class QLineEdit;

namespace piko {

class Announcer;
class DrawingSurface;

// The program's one window: a face on the presenter. It builds one widget for each of the
// presenter's controls (objectName "Command6(12)" and so on), shows each as the presenter says,
// and hands every click, press, key and edit to it. What is the platform's stays here: the whole
// design shown at one zoom, the largest at which it fits the window (which starts as large as
// the screen's free area allows, up to the design's size); F11 for the whole screen; the
// pictures; an input method's composition; input held while a mark is shown; what a screen
// reader is told unasked.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(DrillState &state, const Seams &seams, QWidget *parent = nullptr);
    ~Form1() override;

    // Room kept for the title bar when the window is fitted to the screen's free area.
    static constexpr int kTitleBar = 32;

    DrawingSurface &surface() const { return *m_surface; }
    Presenter &presenter() const { return *m_presenter; }
    Flow &flow() const { return m_presenter->flow(); }
    double zoom() const { return m_zoom; }
    // The controls' own area inside the window: the design at the zoom, centred.
    QWidget &stage() const { return *m_stage; }

    // Lets the flow see the clock while a mark is shown (a timer calls it).
    void tickMark();
    void printWorksheet();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What the presenter has the window do.
    class Events final : public FaceEvents {
    public:
        explicit Events(Form1 &form) : m_form(form) { }
        void show(ControlId id, const ControlView &view) override;
        void focus(ControlId id) override;
        void announce(const std::string &text) override;
        void tickEvery(int ms) override;
        void markShown(int row, bool right) override;
        void close() override;

    private:
        Form1 &m_form;
    };
    struct Built {
        ControlId id;
        QWidget *widget;
        Rect place; // in design pixels of its parent
        int fontPixels; // at the design size; 0 for the parent's font
    };

    void build(const FaceControl &control);
    void connectInput(const FaceControl &control, QWidget *widget);
    QWidget *widget(ControlId id) const;
    const Built *builtFor(const QObject *object) const;
    void showControl(ControlId id, const ControlView &view);
    void place(const Built &built);
    void renderPictures();
    void setZoom(double zoom);
    void fitWindowToScreen();
    void commitComposition(int row);
    bool press(QWidget *on, QEvent *event);
    bool key(QKeyEvent *event);

    Screen &m_screen; // the rest of the seams are the flow's
    QWidget *m_stage = nullptr;
    QSize m_client; // the layout's size in design pixels
    double m_zoom = 1.0;
    DrawingSurface *m_surface = nullptr; // Picture1, made first: the flow draws on it
    Announcer *m_announcer = nullptr; // says what the presenter announces
    Events m_events { *this };
    std::unique_ptr<Presenter> m_presenter;
    std::vector<Built> m_built; // every control, in the order made
    std::map<ControlId, std::size_t> m_byId;
    QHash<const QObject *, std::size_t> m_byWidget;
    QBasicTimer m_markTimer; // looks at the clock while a mark is shown
    QHash<QLineEdit *, QString> m_composing; // text an input method is composing, per box

    // The pictures are drawn once, after the window's first paint: the first screen has none.
    bool m_picturesQueued = false;
    bool m_picturesRendered = false;
};

} // namespace piko
