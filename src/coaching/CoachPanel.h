#pragma once
// The coach's dock: the best choice for the position on the table, what the
// person's last decision cost, and the answer to Hint when it is asked. It
// grows with its text, and scrolls rather than cut it where the screen has
// no more room.

#include <QWidget>

class QLabel;
class QScrollArea;

class CoachPanel final : public QWidget {
    Q_OBJECT
public:
    explicit CoachPanel(QWidget *parent = nullptr);

    void setAdvice(const QString &text);
    void setVerdict(const QString &text);
    void setHint(const QString &text);
    QString advice() const;
    QString verdict() const;
    QString hint() const;

    // No taller than its text.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Grow();

    QScrollArea *m_scroll;
    QWidget *m_text;
    QLabel *m_advice;
    QLabel *m_verdict;
    QLabel *m_hint;
};
