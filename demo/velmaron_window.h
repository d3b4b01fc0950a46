#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace demo {

// The stand-in for the suite's main program: the customer list, and the two programs.
class VelmaronWindow : public QWidget {
    Q_OBJECT
  public:
    explicit VelmaronWindow(QWidget* parent = nullptr);
    // Writes the hand-over file for the chosen account (name and address lines, record number).
    bool writeHandover(int record);

    QLineEdit* search;
    QListWidget* accounts;
    QPushButton *appraisal, *interest, *quit;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void load();
    void filter(const QString& text);
    // Enter in Find: the customer chosen that matches (the first, unless the one chosen does).
    void find();
    // The record number of the last hand-over to Appraise, 0 when there is none.
    static int handedOverRecord();
    bool startProgram(const char* name);
};

} // namespace demo
