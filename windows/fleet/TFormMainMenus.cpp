// The fleet window's menu commands that open other windows or the portal, and its tab strip.
#include "Korvane/AccountCalls.h"
#include "platform/platform.h"
#include "windows/auxiliary/TFormSetting.h"
#include "windows/fleet/TFormMain.h"

// A page of the portal in the default browser, signed in with the session; a browser that
// cannot be started is let go.
void TFormMain::openPortalPage(const char* urlFor) {
  platform::OpenUrl(Korvane::PortalUrl(urlFor, ""));
}

void TFormMain::N17Click() { openPortalPage("user_info_edit"); }
void TFormMain::N9Click() { openPortalPage("password_change"); }
void TFormMain::N11Click() { openPortalPage("account_consume_logs"); }
void TFormMain::N12Click() { openPortalPage("account_pay"); }
void TFormMain::N21Click() { openPortalPage("account_buy_packages"); }
void TFormMain::N20Click() { openPortalPage("account_rebates"); }
void TFormMain::N1111Click() { openPortalPage("cars_filter"); }
void TFormMain::N8Click() { openPortalPage("cars_filter_public"); }
void TFormMain::N23Click() { openPortalPage("new_insurance"); }
void TFormMain::N14Click() { openPortalPage("portal_activity"); }
void TFormMain::N15Click() { openPortalPage("contact_us"); }

void TFormMain::N16Click() {
  TFormSetting settings;
  if (settings.exec() == mrOk) applySettings();
}

void TFormMain::i_carClick() {
  clearSearch();
  WebBrowser1->hide();
  grid->show();
  grid->raise();
  AdvPanel5->show();
  showTabsAsCreated();
}

void TFormMain::i_myClick() { openPortalPage(""); }
