// SPDX-License-Identifier: MIT
#pragma once
// Where the pointer is over the picture, for what follows it besides the
// measuring: the readout in the status bar and the magnifier.
//
// They are told at most once a frame of the screen (frame_ms): a pointer
// sends moves faster than a screen shows them, and repainting a text and an
// inset for each would double the cost of a move. The first move after a
// rest is told at once, the last one of a burst when its frame is up, so
// what they show is never more than a frame behind. The measuring itself
// still follows every move.
//
// A picture shown anew under a still pointer (a zoom step, another file) is
// looked at again once the handler that showed it has finished, so neither
// shows a place the pointer has left.

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QTimer>
#include <optional>

class PictureBox;
struct ViewRoom;

class PointerPlace : public QObject {
    Q_OBJECT
  public:
    static constexpr int frame_ms = 16;

    explicit PointerPlace(const ViewRoom& room);

    // The pointer's place over the picture in P_in pixels; none while it is
    // elsewhere or no picture is open.
    std::optional<QPointF> where() const;
    // True while a move waits for its frame.
    bool pending() const { return paced_.isActive() || again_.isActive(); }

  signals:
    void over(QPointF at); // the pointer is over the picture at `at`, P_in pixels
    void away();           // the pointer is not over the picture

  private:
    void moved(QPointF at);
    void tell(QPointF at);
    void look_again();

    const PictureBox* P_in_;
    // Where the pointer was, in the viewport's pixels: the picture area moves
    // inside it (scrolling, a zoom step) while the pointer stays.
    std::optional<QPointF> in_viewport_;
    QPointF latest_;      // the last move, P_in pixels
    QElapsedTimer since_; // since `over` was last sent
    QTimer paced_;        // sends the last move when its frame is up
    QTimer again_;        // looks again after a new picture
};
