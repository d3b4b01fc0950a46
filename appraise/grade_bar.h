#pragma once
#include "appraise/worksheet/grades.h"

#include <QLabel>
#include <QScrollBar>
#include <string>
#include <utility>
#include <vector>

namespace appraise {

// A grade bar: a horizontal scroll bar over 0..32767 whose keys move one grade at a time (to
// the middle of the next grade's range) and which shows its focus. A stone starts "not graded":
// the bar counts as graded once the user moves it, presses a grading key on it or takes its
// thumb, and Delete takes the grade back.
class GradeBar : public QScrollBar {
    Q_OBJECT
  public:
    GradeBar(GradeScale scale, QWidget* parent);
    GradeScale scale() const { return scale_; }
    GradeSystem system() const { return system_; }
    // The scales the bar grades on; its grade, if any, is read on them from now on.
    void setSystem(GradeSystem system);
    bool isGraded() const { return graded_; }
    // The grade the position stands for, or nothing when the bar was not graded.
    std::string grade() const;
    // What the bar shows beside it: the grade, or "not graded".
    QString shownGrade() const;
    // Back to position 0, not graded.
    void reset();
    // The x, in the bar's own pixels, of the thumb's middle at a position, and back.
    int xOfValue(int value) const;
    int valueAtX(int x) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  signals:
    void gradeChanged();
    void systemChanged();

  private:
    void setGraded(bool on);
    std::pair<int, int> track() const; // the thumb's middle at 0 and at the end
    GradeScale scale_;
    GradeSystem system_ = GradeSystem::Classic;
    bool graded_ = false;
    bool resetting_ = false;
};

// The scale over a grade bar: each grade's label centred over the middle of its range as the
// bar draws it, at any width, font and screen scale. Its caption stays the design's text.
class GradeScaleLabel : public QLabel {
    Q_OBJECT
  public:
    GradeScaleLabel(const QString& caption, const GradeBar* bar, QWidget* parent);
    // Where each label is drawn: its centre's x in this label's pixels, and the grade's range.
    std::vector<std::pair<int, GradeRange>> labelCentres() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const GradeBar* bar_;
};

} // namespace appraise
