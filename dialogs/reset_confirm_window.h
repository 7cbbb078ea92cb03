// CResetConfirmWindow: the modal question before a receiver is reset. Its
// modal run ends with IDOK when the operator confirms, IDCANCEL otherwise.
//
//   CResetConfirmWindow question;
//   question.SetOwnerReference(menu.Handle());
//   if (question.DoModal() == IDOK) ... reset ...
#pragma once

#include "platform/window/dialog.h"

namespace skin {
class CTransparentStatic;
}

namespace dialogs {

class CResetConfirmWindow : public platform::window::Dialog {
  public:
    CResetConfirmWindow();
    ~CResetConfirmWindow() override;

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnShowWindow(bool show) override;

  private:
    skin::CTransparentStatic* m_question = nullptr;
};

}  // namespace dialogs
