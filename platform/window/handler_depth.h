// Counts a dialog's handler in progress for its length: while one runs,
// controls it may be handling are not freed at once.
#pragma once

namespace platform::window {

class Depth {
  public:
    explicit Depth(int& depth) : m_depth(depth) { ++m_depth; }
    ~Depth() { --m_depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

  private:
    int& m_depth;
};

}  // namespace platform::window
