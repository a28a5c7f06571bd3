#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kestrova {

// A pair of arrow buttons attached to an edit box that steps the number in it within a range.
// The edit box keeps free text (so a wrong entry can be reported when it is used); a step
// starts from the number in the box when there is one, and the up and down keys in the box
// step too.
class TUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TUpDown(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    void SetRange(int minimum, int maximum);
    int Minimum() const { return FMinimum; }
    int Maximum() const { return FMaximum; }

    // Sets the position (clamped to the range) and shows it in the edit box.
    void SetPosition(int position);
    int Position() const { return FPosition; }

signals:
    // A click on either arrow (or an arrow key in the edit box), also at the range's ends.
    void Clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int delta);

    QToolButton* FUp;
    QToolButton* FDown;
    QLineEdit* FBuddy = nullptr;
    int FMinimum = 0;
    int FMaximum = 100;
    int FPosition = 0;
};

}  // namespace kestrova
