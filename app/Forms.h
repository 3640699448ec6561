// The program-wide references of the fixed window set, each set once at start-up and valid
// until the process ends. Windows reach each other only through these.
#pragma once

class TFormLogin;
class TFormMain;
class TFormMsg;
class TFormRegist;
class TFormCarType;
class TFormArea;
class TFormKey;
class TFormSorry;
class TFormSetting;

extern TFormLogin* FormLogin;
extern TFormMain* FormMain;
extern TFormMsg* FormMsg;
extern TFormRegist* FormRegist;
extern TFormCarType* FormCarType;
extern TFormArea* FormArea;
extern TFormKey* FormKey;
extern TFormSorry* FormSorry;
extern TFormSetting* FormSetting;
