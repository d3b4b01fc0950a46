#include "appraise/grade_bar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionSlider>

namespace appraise {

GradeBar::GradeBar(GradeScale scale, QWidget* parent) : QScrollBar(Qt::Horizontal, parent), scale_(scale) {
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (!resetting_) setGraded(true);
        emit gradeChanged();
    });
    connect(this, &QScrollBar::sliderPressed, this, [this] { setGraded(true); });
}

std::string GradeBar::grade() const { return graded_ ? gradeAt(scale_, value(), system_) : std::string(); }

QString GradeBar::shownGrade() const {
    return graded_ ? QString::fromStdString(gradeAt(scale_, value(), system_)) : QStringLiteral("not graded");
}

void GradeBar::setSystem(GradeSystem system) {
    if (system == system_) return;
    system_ = system;
    emit systemChanged();
    emit gradeChanged();
}

void GradeBar::reset() {
    resetting_ = true;
    setValue(0);
    resetting_ = false;
    setGraded(false);
}

void GradeBar::setGraded(bool on) {
    if (on == graded_) return;
    graded_ = on;
    emit gradeChanged();
}

std::pair<int, int> GradeBar::track() const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove, this);
    const QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
    const int first = groove.x() + thumb.width() / 2;
    return {first, first + groove.width() - thumb.width()};
}

int GradeBar::xOfValue(int value) const {
    const auto [first, last] = track();
    return first + QStyle::sliderPositionFromValue(minimum(), maximum(), value, last - first);
}

int GradeBar::valueAtX(int x) const {
    const auto [first, last] = track();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - first, last - first);
}

void GradeBar::keyPressEvent(QKeyEvent* event) {
    int steps = 0;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown: steps = 1; break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp: steps = -1; break;
    case Qt::Key_Home: steps = -1000; break;
    case Qt::Key_End: steps = 1000; break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        reset();
        event->accept();
        return;
    default: QScrollBar::keyPressEvent(event); return;
    }
    // The first grading key on a bar not graded yet takes the grade under the thumb.
    setGraded(true);
    setValue(stepGrade(scale_, value(), steps, system_));
    event->accept();
}

void GradeBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

GradeScaleLabel::GradeScaleLabel(const QString& caption, const GradeBar* bar, QWidget* parent)
    : QLabel(caption, parent), bar_(bar) {
    connect(bar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update));
    connect(bar, &GradeBar::systemChanged, this, qOverload<>(&QWidget::update));
}

std::vector<std::pair<int, GradeRange>> GradeScaleLabel::labelCentres() const {
    std::vector<std::pair<int, GradeRange>> centres;
    for (const GradeRange& r : gradeRanges(bar_->scale(), bar_->system())) {
        const QPoint atBar(bar_->xOfValue(r.middle()), 0);
        centres.emplace_back(mapFrom(parentWidget(), bar_->mapTo(parentWidget(), atBar)).x(), r);
    }
    return centres;
}

void GradeScaleLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics m(font());
    for (const auto& [x, r] : labelCentres()) {
        const QString label = QString::fromLatin1(r.label);
        const int w = m.horizontalAdvance(label);
        painter.drawText(QRect(x - w / 2, 0, w, height()), Qt::AlignHCenter | Qt::AlignBottom, label);
    }
}

} // namespace appraise
