// A window for the window-object tests of every backend: it fills itself in
// one colour and records what reaches its handlers, as "paint 12",
// "down 3,4", "move 6,5", "up 7,2", "size 30x20".
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/window/window.h"

namespace window_checks {

using namespace platform::window;

inline constexpr ColorRef RECORDER_FILL = Rgb(10, 200, 30);

// A payload for posted messages that counts how many records are alive, so a test sees frees and
// leaks.
struct Record {
    static inline std::atomic<int> alive{0};
    explicit Record(int v) : value(v) { ++alive; }
    ~Record() { --alive; }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    int value;
};

class Recorder : public Window {
  public:
    explicit Recorder(bool paints = true) {
        if (paints) SetPaintsItself();
    }
    ~Recorder() override {
        if (destroyed != nullptr) ++*destroyed;
    }

    std::vector<std::string> seen;
    int* destroyed = nullptr;

    // What was seen besides paints.
    std::vector<std::string> SeenBesidesPaints() const {
        std::vector<std::string> relevant;
        for (const std::string& s : seen)
            if (s.rfind("paint", 0) != 0) relevant.push_back(s);
        return relevant;
    }

  protected:
    void OnPaint(DeviceContext& dc) override {
        seen.push_back("paint " + std::to_string(GetClientRect().Width()));
        dc.FillRect(GetClientRect(), RECORDER_FILL);
    }
    void OnLButtonDown(Point p) override { seen.push_back(Named("down", p)); }
    void OnLButtonUp(Point p) override { seen.push_back(Named("up", p)); }
    void OnMouseMove(Point p) override { seen.push_back(Named("move", p)); }
    void OnSize(int width, int height) override {
        seen.push_back("size " + std::to_string(width) + "x" + std::to_string(height));
    }

  private:
    static std::string Named(const char* what, Point p) {
        return std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
    }
};

}  // namespace window_checks
