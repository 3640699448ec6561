#include "app/Forms.h"

TFormLogin* FormLogin = nullptr;
TFormMain* FormMain = nullptr;
TFormMsg* FormMsg = nullptr;
TFormRegist* FormRegist = nullptr;
TFormCarType* FormCarType = nullptr;
TFormArea* FormArea = nullptr;
TFormKey* FormKey = nullptr;
TFormSorry* FormSorry = nullptr;
TFormSetting* FormSetting = nullptr;
