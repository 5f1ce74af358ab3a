// SPDX-License-Identifier: MIT
#include "measure/measuring_door.h"

#include "form/measure_room.h"
#include "measure/chain.h"
#include "measure/modes.h"
#include "measure/result_panel.h"
#include "measure/trace_colours.h"
#include "widgets/line_object.h"

namespace {

class Door : public MeasuringDoor {
  public:
    explicit Door(const MeasureRoom& room) : room_(room) {}

    void clear_shown_measurement() override {
        switch (measuring_mode(room_)) {
        case MeasuringMode::single:
            hide_markers(room_);
            break;
        case MeasuringMode::chain:
            clear_segments(room_);
            break;
        case MeasuringMode::free_hand:
            break;
        }
    }
    void restart_measuring() override { ::restart_measuring(room_); }
    void show_cross_hair(bool shown) override {
        room_.L_trace_x->set_visible(shown);
        room_.L_trace_y->set_visible(shown);
    }
    bool lines_hidden() const override { return ::lines_hidden(room_); }
    void convert_results(float old_scale, float new_scale) override {
        ::convert_results(room_, old_scale, new_scale);
    }
    std::array<ShownResult, 3> results() const override { return shown_results(room_); }
    void mark_row_saved() override { set_trace_green(room_); }
    void mark_measuring() override { set_trace_grey(room_); }

  private:
    MeasureRoom room_;
};

} // namespace

std::unique_ptr<MeasuringDoor> make_measuring_door(const MeasureRoom& room) {
    return std::make_unique<Door>(room);
}
