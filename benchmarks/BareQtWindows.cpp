// The yardstick of the motion benchmark (motion-benchmark.sh): faces whose eyes follow the pointer
// as a plain Qt program would show them, with none of Lookabout's logic, to compare its costs
// against. Each argument is one window, PICTURE,X,Y,EYE1X,EYE1Y,EYE2X,EYE2Y in pixels (the
// picture's upper-left colour is cut away). One 22 ms timer reads the pointer once per tick,
// moves every window an eighth of the way towards it and repaints the eyes whose look changed.
#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kEyeWidth = 12, kEyeHeight = 14, kPupil = 6;

class Face final : public QWidget {
public:
    Face(const QPixmap& picture, QPoint at, QPoint eye1, QPoint eye2)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), mPicture(picture), mEyes{eye1, eye2} {
        setWindowTitle(QStringLiteral("Bare Qt window"));
        setFixedSize(picture.size());
        setMask(picture.createMaskFromColor(picture.toImage().pixelColor(0, 0)));
        move(at);
    }

    void Tick(QPoint pointer) {
        const QPoint step = (pointer - geometry().center()) / 8.0;
        if (!step.isNull())
            move(pos() + step);
        for (int i = 0; i < 2; ++i) {
            const QPoint look = Look(i, pointer);
            if (look != mLook[i]) {
                mLook[i] = look;
                update(EyeRect(i));
            }
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, mPicture);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 2; ++i) {
            p.setBrush(Qt::white);
            p.drawEllipse(EyeRect(i));
            p.setBrush(Qt::black);
            p.drawEllipse(QRect(mEyes[i] + mLook[i] - QPoint(kPupil / 2, kPupil / 2), QSize(kPupil, kPupil)));
        }
    }

private:
    QRect EyeRect(int i) const {
        return QRect(mEyes[i] - QPoint(kEyeWidth / 2, kEyeHeight / 2), QSize(kEyeWidth, kEyeHeight));
    }

    // The pupil's offset from the eye's centre: towards the pointer, to the eye's edge.
    QPoint Look(int i, QPoint pointer) const {
        const QPointF d = pointer - (pos() + mEyes[i]);
        const double length = std::hypot(d.x(), d.y());
        if (length < 1)
            return {};
        return QPoint(int(std::lround(d.x() / length * (kEyeWidth - kPupil) / 2)),
                      int(std::lround(d.y() / length * (kEyeHeight - kPupil) / 2)));
    }

    QPixmap mPicture;
    QPoint mEyes[2];
    QPoint mLook[2];
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::unique_ptr<Face>> faces;
    for (const QString& window : app.arguments().mid(1)) {
        const QStringList f = window.split(',');
        const QPixmap picture(f.value(0));
        if (f.size() != 7 || picture.isNull()) {
            std::fprintf(stderr, "usage: lookabout_bare_qt PICTURE,X,Y,EYE1X,EYE1Y,EYE2X,EYE2Y...\n");
            return 2;
        }
        auto n = [&](int i) { return f[i].toInt(); };
        faces.push_back(std::make_unique<Face>(picture, QPoint(n(1), n(2)), QPoint(n(3), n(4)), QPoint(n(5), n(6))));
        faces.back()->show();
    }
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&faces] {
        const QPoint pointer = QCursor::pos();
        for (const auto& face : faces)
            face->Tick(pointer);
    });
    timer.start(22);
    return app.exec();
}
