// A plain shape on a window: a rectangle outline (the frames around the picker's labels) or a
// filled rectangle with an outline (the editor's colour swatches). Mouse input passes through it.
#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

class ctlShape final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlShape)

public:
    explicit ctlShape(QWidget* parent = nullptr);

    // Colours are R + 256 G + 65536 B.
    std::int32_t BorderColor() const { return mBorderColor; }
    void SetBorderColor(std::int32_t colour);
    // Nothing: the inside is not painted (transparent).
    std::optional<std::int32_t> FillColor() const { return mFillColor; }
    void SetFillColor(std::optional<std::int32_t> colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t mBorderColor = 0;
    std::optional<std::int32_t> mFillColor;
};

// A colour value R + 256 G + 65536 B as a QColor.
QColor RgbValueColor(std::int32_t colour);
