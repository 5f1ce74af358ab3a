// SPDX-License-Identifier: MIT
#include "scale/scale_door.h"

#include "form/check_value.h"
#include "form/scale_room.h"
#include "scale/calibration.h"
#include "scale/scale_bar.h"
#include "widgets/click_label.h"
#include "widgets/line_object.h"

namespace {

class Door : public ScaleDoor {
  public:
    explicit Door(const ScaleRoom& room) : room_(room) {}

    ShownScaleBar shown_scale_bar() const override {
        ShownScaleBar bar;
        if (value(room_.Check_hidescale) != 0) return bar;
        if (value(room_.Check_hidedivisions) == 0) {
            bar.caption = room_.L_div->text();
            bar.caption_at = room_.L_div->pos();
        }
        for (const LineObject* line : {room_.Line_ax0, room_.Line_ax1, room_.Line_eq})
            bar.lines.emplace_back(line->X1(), line->Y1(), line->X2(), line->Y2());
        return bar;
    }
    void draw_scale_bar() override { ::draw_scale_bar(room_); }
    void keep_calibration_line(const ViewMapping& was, const ViewMapping& now) override {
        ::keep_calibration_line(room_, was, now);
    }
    bool end_calibration() override { return ::end_calibration(room_); }

  private:
    ScaleRoom room_;
};

} // namespace

std::unique_ptr<ScaleDoor> make_scale_door(const ScaleRoom& room) {
    return std::make_unique<Door>(room);
}
