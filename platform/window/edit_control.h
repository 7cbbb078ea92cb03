// A single-line edit control. ES_CENTER and ES_RIGHT align the text,
// ES_NUMBER lets only digits in (typed or pasted), ES_READONLY and
// ES_PASSWORD do what they say; the text always scrolls horizontally.
// Every change of the text, by the operator or by the program, notifies the
// dialog with EN_UPDATE (before it is drawn) and EN_CHANGE.
#pragma once

#include <QLineEdit>

#include <cstdint>

namespace platform::window {

class EditControl : public QLineEdit {
    Q_OBJECT

  public:
    explicit EditControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);

    // Selects characters [start, end); end -1 means to the end of the text.
    void SetSel(int start, int end);
    void LimitText(int characters);

  private:
    std::uint32_t m_style = 0;
};

}  // namespace platform::window
