#pragma once
#include <QAbstractButton>
#include <QWidget>

class QButtonGroup;

namespace kestrova {

// One tab of the options dialog's footer: a caption on the footer band; the current tab
// stands out as a raised light face with the accent line under its caption.
class TPageTab : public QAbstractButton {
    Q_OBJECT

public:
    TPageTab(const QString& caption, QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// The footer's row of tabs that switches the dialog's pages.
class TPageTabs : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabHeight = 26;

    // One tab per caption, named by `names`, laid out from the left with a small gap.
    TPageTabs(const QStringList& captions, const QStringList& names, QWidget* parent);

    int Current() const;
    void SetCurrent(int page);
    TPageTab* Tab(int page) const;

signals:
    void CurrentChanged(int page);

private:
    QButtonGroup* FGroup;
};

}  // namespace kestrova
