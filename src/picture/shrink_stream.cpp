// SPDX-License-Identifier: MIT
#include "picture/shrink_stream.h"

#include "picture/picture_memory.h"
#include "picture/shrink_plan.h"

using namespace area_average;

// Output row y takes the source rows of its span with their weights. Spans
// are contiguous and each holds at least one source row, so a source row
// counts towards at most two output rows, y and y + 1, and closes at most
// one: two rows of sums, used turn about, are all the state there is.
struct ShrinkStream::Rows {
    explicit Rows(std::unique_ptr<const ShrinkPlan> made) : plan(std::move(made)) {}
    virtual ~Rows() = default;
    virtual void add_row(const uint32_t* row) = 0;
    const std::unique_ptr<const ShrinkPlan> plan;
    int next_output = 0;
    int output_rows = 0;
};

namespace {

// Output rows made resident ahead of the writing, a band at a time.
constexpr qsizetype present_bytes = qsizetype(4) << 20;

template <class Sum> class RowsOf : public ShrinkStream::Rows {
  public:
    RowsOf(std::unique_ptr<const ShrinkPlan> made, QImage& into)
        : Rows(std::move(made)), across_(plan->across()), down_(plan->down()),
          divide_(plan->divider()), small_(small_products(across_, down_)),
          w_(size_t(into.width())), out_(into.bits()), out_line_(into.bytesPerLine()),
          reduced_(w_ * 4), sums_{std::vector<Sum>(w_ * 4), std::vector<Sum>(w_ * 4)} {
        output_rows = into.height();
        present_rows_ = int(std::max<qsizetype>(1, present_bytes / out_line_));
    }

    void add_row(const uint32_t* row) override {
        const int j = next_source_++;
        if (next_output >= output_rows) return;
        reduce_across(row, across_, 0, int(w_), reduced_.data());
        for (int y = next_output; y < output_rows && down_.spans[size_t(y)].first <= j; ++y) {
            const Span& s = down_.spans[size_t(y)];
            add_weighted(sums_[y & 1].data(), reduced_.data(), w_ * 4,
                         Sum(down_.weights[size_t(s.weight + j - s.first)]), small_, j == s.first);
        }
        const Span& s = down_.spans[size_t(next_output)];
        if (j < s.first + s.count - 1) return;
        make_present();
        divide_row(sums_[next_output & 1].data(), w_, divide_,
                   reinterpret_cast<uint32_t*>(out_ + next_output * out_line_));
        ++next_output;
    }

  private:
    void make_present() {
        if (next_output < present_to_) return;
        make_bytes_present(out_ + next_output * out_line_,
                           size_t(present_rows_) * size_t(out_line_),
                           out_ + output_rows * out_line_);
        present_to_ = next_output + present_rows_;
    }

    const Spans &across_, &down_;
    const Divider& divide_;
    const bool small_;
    const size_t w_;
    uchar* const out_;
    const qsizetype out_line_;
    std::vector<uint32_t> reduced_;
    std::vector<Sum> sums_[2];
    int next_source_ = 0;
    int present_to_ = 0;
    int present_rows_ = 1;
};

} // namespace

ShrinkStream::ShrinkStream(QSize from, QImage& into) {
    auto plan = std::make_unique<const ShrinkPlan>(from, into.size());
    if (plan->sums_fit_32_bits())
        rows_ = std::make_unique<RowsOf<uint32_t>>(std::move(plan), into);
    else
        rows_ = std::make_unique<RowsOf<uint64_t>>(std::move(plan), into);
}

ShrinkStream::~ShrinkStream() = default;

void ShrinkStream::add(const uchar* rows, qsizetype line, int count) {
    for (int k = 0; k < count; ++k)
        rows_->add_row(reinterpret_cast<const uint32_t*>(rows + k * line));
}

bool ShrinkStream::complete() const {
    return rows_->next_output == rows_->output_rows;
}

ShrinkPipe::ShrinkPipe(QSize from, QImage& into, int band_rows)
    : stream_(from, into), line_(qsizetype(from.width()) * 4), band_rows_(std::max(1, band_rows)) {
    for (auto& band : bands_)
        band.resize(size_t(band_rows_) * size_t(from.width()));
    if (qint64(from.width()) * from.height() >= (1 << 20)) worker_.start([this] { work(); });
}

ShrinkPipe::~ShrinkPipe() {
    worker_.stop();
}

uchar* ShrinkPipe::band() {
    worker_.wait_until([&] { return queued_rows_[filling_] == 0; });
    return reinterpret_cast<uchar*>(bands_[filling_].data());
}

void ShrinkPipe::hand_over(int rows) {
    if (rows <= 0) return;
    if (!worker_.running()) {
        stream_.add(reinterpret_cast<const uchar*>(bands_[filling_].data()), line_, rows);
        return;
    }
    worker_.post([&] { queued_rows_[filling_] = rows; });
    filling_ ^= 1;
}

bool ShrinkPipe::finish() {
    worker_.wait_until([&] { return queued_rows_[0] == 0 && queued_rows_[1] == 0; });
    return stream_.complete();
}

// Bands are shrunk in the order they were handed over: the caller fills them
// turn about, starting with the first.
void ShrinkPipe::work() {
    for (int next = 0;; next ^= 1) {
        int rows = 0;
        if (!worker_.wait_until([&] { return (rows = queued_rows_[next]) != 0; })) return;
        stream_.add(reinterpret_cast<const uchar*>(bands_[next].data()), line_, rows);
        worker_.post([&] { queued_rows_[next] = 0; });
    }
}
