// Marks a change a control makes on its code's behalf (not the operator's),
// for as long as the guard lives; controls notify their dialog only of the
// operator's changes, as Win32 controls do.
#pragma once

namespace platform::window {

class ByCode {
  public:
    explicit ByCode(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~ByCode() { m_flag = m_was; }
    ByCode(const ByCode&) = delete;
    ByCode& operator=(const ByCode&) = delete;

  private:
    bool& m_flag;
    bool m_was;
};

}  // namespace platform::window
