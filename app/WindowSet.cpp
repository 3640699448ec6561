#include "app/WindowSet.h"

#include "app/Forms.h"
#include "app/TApplication.h"
#include "app/TFormMsg.h"
#include "windows/auxiliary/TFormSetting.h"
#include "windows/auxiliary/TFormSorry.h"
#include "windows/editor/TFormArea.h"
#include "windows/editor/TFormCarType.h"
#include "windows/editor/TFormKey.h"
#include "windows/fleet/TFormMain.h"
#include "windows/login/TFormLogin.h"
#include "windows/login/TFormRegist.h"

void CreateWindowSet(TApplication& application) {
  application.CreateForm(FormLogin);
  application.CreateForm(FormMain);
  application.CreateForm(FormMsg);
  application.CreateForm(FormRegist);
  application.CreateForm(FormCarType);
  application.CreateForm(FormArea);
  application.CreateForm(FormKey);
  application.CreateForm(FormSorry);
  application.CreateForm(FormSetting);
}
