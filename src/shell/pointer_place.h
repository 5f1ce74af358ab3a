#pragma once
// Where the pointer is over the picture, for what follows it besides the
// measuring: the readout in the status bar and the magnifier. A picture shown
// anew under a still pointer (a zoom step, another file) is looked at again
// once the handler that showed it has finished, so neither shows a place the
// pointer has left.

#include <QObject>
#include <QPointF>
#include <QTimer>
#include <optional>

class F_main;

class PointerPlace : public QObject {
    Q_OBJECT
  public:
    explicit PointerPlace(F_main& f);

    // The pointer's place over the picture in P_in pixels; none while it is
    // elsewhere or no picture is open.
    std::optional<QPointF> where() const;

  signals:
    void over(QPointF at); // the pointer is over the picture at `at`, P_in pixels
    void away();           // the pointer is not over the picture

  private:
    void moved(QPointF at);
    void look_again();

    F_main& f_;
    // Where the pointer was, in the viewport's pixels: the picture area moves
    // inside it (scrolling, a zoom step) while the pointer stays.
    std::optional<QPointF> in_viewport_;
    QTimer again_;
};
