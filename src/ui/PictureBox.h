#pragma once
// A die on the table: shows a picture unscaled at its top-left corner and,
// when BorderStyle is 1, a sunken frame around it (the box grows by the
// frame, the picture shifts inside it).

#include <QFrame>
#include <QPixmap>

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

    // 0: no frame, 1: single frame.
    void setBorderStyle(int style);
    int borderStyle() const { return m_borderStyle; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_picture;
    int m_borderStyle = 0;
    bool m_pressed = false;
};
