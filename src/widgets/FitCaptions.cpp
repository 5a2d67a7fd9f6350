// Fitting the controls' captions to their places.
#include "widgets/FitCaptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace {

// Where a control keeps the font it had before its first fitting, so a later, shorter text gets it back.
constexpr char kDesignFont[] = "designFont";
constexpr double kPointStep = 0.25;
// The space between a button's picture and its text, as the styles draw it.
constexpr int kIconSpacing = 4;

// The condensed faces of the common sans-serif families, those installed.
const QStringList& CondensedFamilies() {
    static const QStringList present = [] {
        QStringList families;
        for (const char* family :
             {"DejaVu Sans Condensed", "Liberation Sans Narrow", "Nimbus Sans Narrow", "Arial Narrow"})
            if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
                families << QString::fromLatin1(family);
        return families;
    }();
    return present;
}

// Those with the condensed face of the design's own family first.
QStringList CondensedFamiliesFor(const QFont& design) {
    QString family = QFontInfo(design).family();
    if (const qsizetype foundry = family.indexOf(QStringLiteral(" [")); foundry >= 0)
        family.truncate(foundry); // "Nimbus Sans [urw]"
    QStringList families = CondensedFamilies();
    std::stable_partition(families.begin(), families.end(),
                          [&](const QString& condensed) { return condensed.startsWith(family + QLatin1Char(' ')); });
    return families;
}

bool IsCaptioned(const QWidget& w) {
    return qobject_cast<const QLabel*>(&w) || qobject_cast<const QAbstractButton*>(&w) ||
           qobject_cast<const QComboBox*>(&w);
}

QStringList TextsOf(const QWidget& control) {
    if (const QVariant listed = control.property(kCaptionTexts); listed.isValid())
        return listed.toStringList();
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return {label->text()};
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return {button->text()};
    QStringList items;
    if (const auto* list = qobject_cast<const QComboBox*>(&control))
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
    return items;
}

CaptionRoom Measure(const QWidget& control, const QFont& font) {
    CaptionRoom room;
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& text : TextsOf(control))
        if (const int width = metrics.horizontalAdvance(text); width > widest || room.text.isNull()) {
            widest = width;
            room.text = text;
        }
    if (room.text.isEmpty())
        return {};
    const QStyle* style = control.style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
    room.needed = {widest, 0};
    room.available = {control.width(), 0};
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        const QRect inside =
            label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        room.available.setWidth(inside.width());
        if (label->wordWrap()) {
            // Lines wrap at blanks: a word wider than the label, or more lines than its height holds, is cut.
            room.needed = metrics.boundingRect(QRect(0, 0, inside.width(), 100000), Qt::TextWordWrap, room.text).size();
            room.available.setHeight(inside.height());
        }
    } else if (qobject_cast<const QCheckBox*>(&control)) {
        room.needed.rwidth() += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &control) +
                                style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &control);
    } else if (qobject_cast<const QRadioButton*>(&control)) {
        room.needed.rwidth() += style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &control) +
                                style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &control);
    } else if (const auto* tool = qobject_cast<const QToolButton*>(&control)) {
        if (!tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            room.needed.rwidth() += tool->iconSize().width() + kIconSpacing;
        room.available.rwidth() -= 2 * frame;
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        if (!button->icon().isNull())
            room.needed.rwidth() += button->iconSize().width() + kIconSpacing;
        room.available.rwidth() -= 2 * frame;
    } else if (const auto* list = qobject_cast<const QComboBox*>(&control)) {
        // The closed list shows its entry beside the arrow, a pixel in from each side.
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = false;
        option.frame = list->hasFrame();
        room.available.setWidth(
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width() - 2);
    }
    return room;
}

// The design's size, then a quarter point smaller each, down to the smallest.
std::vector<double> Sizes(const QFont& design) {
    std::vector<double> sizes{design.pointSizeF()};
    while (sizes.back() > kSmallestCaptionPoints)
        sizes.push_back(std::max(sizes.back() - kPointStep, kSmallestCaptionPoints));
    return sizes;
}

// The first font in which the control's texts fit, from the design's font on.
QFont Fitted(const QWidget& control, const QFont& design) {
    // A font set in pixels is left as it is.
    if (design.pointSizeF() <= 0)
        return design;
    QFont font = design;
    const auto fits = [&] { return Measure(control, font).Fits(); };
    const QStringList condensed = CondensedFamiliesFor(design);
    for (double size : Sizes(design)) {
        font = design;
        font.setPointSizeF(size);
        if (fits())
            return font;
        for (const QString& family : condensed) {
            font.setFamilies({family});
            if (fits())
                return font;
        }
    }
    // Nothing installed is narrow enough at the smallest size (strongly hinted glyphs are wider): the
    // renderer narrows the last face tried.
    for (int stretch : {90, 80, 75}) {
        font.setStretch(stretch);
        if (fits())
            return font;
    }
    return font;
}

// A panel of a thousand rows fits the same captions in the same places a thousand times: a choice is made once
// for each font, texts and room, and what is drawn beside the text.
QFont CachedFitted(const QWidget& control, const QFont& design) {
    const CaptionRoom room = Measure(control, design);
    if (room.Fits())
        return design;
    const auto* label = qobject_cast<const QLabel*>(&control);
    const int beside = label ? 0 : room.needed.width() - QFontMetrics(design).horizontalAdvance(room.text);
    const QString key = QStringList{design.toString(),
                                    design.families().join(QLatin1Char(',')),
                                    TextsOf(control).join(QChar(0)),
                                    QString::number(label && label->wordWrap()),
                                    QString::number(room.available.width()),
                                    QString::number(room.available.height()),
                                    QString::number(beside)}
                            .join(QChar(1));
    static QHash<QString, QFont> chosen;
    if (chosen.size() > 10000)
        chosen.clear();
    auto found = chosen.constFind(key);
    if (found == chosen.constEnd())
        found = chosen.insert(key, Fitted(control, design));
    return *found;
}

void FitOne(QWidget& control) {
    QVariant design = control.property(kDesignFont);
    if (!design.isValid()) {
        design = control.font();
        control.setProperty(kDesignFont, design);
    }
    if (const QFont chosen = CachedFitted(control, design.value<QFont>()); control.font() != chosen)
        control.setFont(chosen);
}

} // namespace

void FitCaptions(QWidget& root) {
    if (IsCaptioned(root))
        FitOne(root);
    for (QWidget* child : root.findChildren<QWidget*>())
        if (IsCaptioned(*child))
            FitOne(*child);
}

CaptionRoom MeasureCaption(const QWidget& control) {
    return Measure(control, control.font());
}
