// A character window: borderless, cut to the outline of its face, in the topmost band once the
// user has activated it, with no taskbar entry. It holds the character's record as public fields.
#pragma once

#include "character/CharacterClock.h"
#include "character/Gaze.h"
#include "settings/ProgramState.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

class frmPic final : public QWidget, public CharacterWindowBase, private Tickable {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPic)

public:
    frmPic();
    ~frmPic() override;
    void setVisible(bool visible) override;

    void MakeWindowRegion() override;
    void SetCuriouSpeed() override;
    void SetWindowStyle() override;
    void RefreshImage() override;
    void Unload() override;

    TwipsRect GeometryTwips() const override;
    bool IsShown() const override;
    bool IsMinimised() const override;

    // The tick: find the target, move one step towards it or away from it, update the eyes.
    // The clock passes the pointer it read once for all characters of the round.
    // The second form returns whether the window moved.
    void Timer1_Timer();
    bool Timer1_Timer(QPoint pointer);
    // The character editor pauses a character while the user drags its start position.
    void SetTimer1Enabled(bool enabled) {
        mTimer1Enabled = enabled;
        CharacterClock::Instance().Wake();
    }
    bool Timer1Enabled() const { return mTimer1Enabled; }

    // The face as loaded (the error picture when loading failed; with an alpha channel when the file
    // has transparency), and what the window shows.
    const QImage& Picture() const { return mPicture; }
    const QImage& Surface() const { return mSurface; }
    float FactorX() const { return mFactorX; }
    float FactorY() const { return mFactorY; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A character that moves, changes size, shows or hides changes where the others look and go.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The clock's tick: Timer1_Timer unless the window is paused.
    bool Tick(QPoint pointer) override;

    // The picture file as a path on this system: the program's folder, then the name, whose
    // Windows separators are taken as folder separators.
    QString PicturePath() const;
    static QImage LoadPicture(const QString& path);
    // The picture as the window's surface holds it: with its alpha where the window is translucent.
    QImage SurfaceOf(const QImage& picture) const;

    // Restores the eye rectangles from the bare picture and draws both irises.
    void DrawEyes(const GazeFrame& frame);
    // An eye's iris drawn once at the origin of a box of its size, with its outline around it; drawing
    // the irises is copying these, and a change of size, outline or colour draws them anew.
    const QImage& IrisPicture(std::size_t eye, int width, int height);
    // An outline of width 0 is drawn one pixel wide.
    int IrisPen() const { return std::max<int>(mIrisWidth, 1); }

    QImage mPicture;
    QImage mBare;    // the picture in the surface's form, which the eye rectangles are restored from
    QImage mSurface;
    float mFactorX = 0;
    float mFactorY = 0;
    bool mTimer1Enabled = true;
    bool mDragging = false;
    WId mNativeWindow = 0; // the one the window-system settings were made on
    int mDragX = 0, mDragY = 0;
    struct IrisCache {
        int width = 0, height = 0, pen = 0;
        std::int32_t iris = 0, pupil = 0;
        QImage picture;
    };
    std::array<IrisCache, 2> mIris;
    EyeOffsets mLastEye; // each eye's offset from the target at the last repaint
    // What the last repaint drew; a new gaze that lands on the same pixels draws nothing.
    std::optional<std::pair<std::array<EllipseBox, 2>, std::array<PixelRect, 2>>> mLastDrawn;
};
