#pragma once
#include <QPlainTextEdit>

namespace kestrova {

// The activity log: the queue's own messages and every engine log line, one per line. A
// double click empties it. It keeps the latest lines only, so that a long run at a verbose
// log level cannot fill the memory.
class TActivityLog : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 10000;

    explicit TActivityLog(QWidget* parent = nullptr);

    void AppendLine(const QString& line);
    QStringList Lines() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace kestrova
