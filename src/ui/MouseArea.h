#pragma once

#include <QPointF>
#include <QWidget>

namespace ui {

// A widget whose mouse events reach the program as events of its own: MouseDown, MouseMove and
// MouseUp (button, shift, x, y), with x and y in the units the widget measures in (toUnits);
// Click for a press and release on it; DblClick. Image boxes, picture boxes and the client area
// of every form are mouse areas.
class MouseArea : public QWidget {
    Q_OBJECT
  public:
    explicit MouseArea(QWidget* parent);

  signals:
    void Click();
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);

  protected:
    // A position in the widget's pixels in the units its events report.
    virtual QPointF toUnits(const QPointF& pixels) const = 0;

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    bool pressed_ = false;
};

}  // namespace ui
