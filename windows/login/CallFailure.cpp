#include "windows/login/CallFailure.h"

#include "Korvane/Deployment.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "platform/platform.h"

namespace login {
namespace {

const QString kNotice = QStringLiteral("提示");
const QString kError = QStringLiteral("错误");
const QString kConfirm = QStringLiteral("确认");
const QString kRepair = QStringLiteral("尝试修复");

const QString kNetworkHint =
    QStringLiteral("\r\n\r\n请检查本机网络连接是否正常!\r\n或者请联系客服协助解决!");
const QString kClockHint = QStringLiteral("\r\n\r\n请检查本机系统时间是否正确!");
const QString kActivationHint = QStringLiteral("\r\n\r\n点击确认立即进行激活操作!");
const QString kRepairDone = QStringLiteral(
    "故障修复操作完成!\r\n\r\n请尝试重新执行之前的操作\r\n如果问题依然存在\r\n"
    "请在重启电脑后再次尝试\r\n或者请联系客服协助解决!");

QString TimeoutText(const QString& code) {
  return QStringLiteral("登录超时\r\n\r\n[代码:") + code +
         QStringLiteral("]\r\n\r\n请检查本机网络连接后再次尝试!");
}

}  // namespace

QString ServiceReport(const Korvane::TMYResult& result) {
  return QString::fromStdString(result.message) + QStringLiteral("\r\n\r\n[代码:") +
         QString::fromStdString(result.code) + QStringLiteral("]");
}

QString NetworkText(TNetworkText which) {
  return QStringLiteral(
             "暂时无法使用Vandrel服务!\r\n\r\n请先检查并确认以下情况:\r\n\r\n"
             "1.其他网站能否正常访问\r\n2.360等防火墙是否误设置拦截\r\n") +
         (which == TNetworkText::N1 ? QStringLiteral("3.DNS服务器是否设置正确\r\n")
                                    : QString()) +
         QStringLiteral("\r\n如果这个问题已经多次出现\r\n请点击下面的按钮");
}

void ShowCallFailure(const Korvane::TMYResult& result, TNetworkText network,
                     const QString& otherText) {
  const std::string& code = result.code;
  if (code == "000") {
    FormMsg->showInfo(kNotice, ServiceReport(result) + kNetworkHint, kConfirm);
  } else if (code == "102") {
    FormMsg->showInfo(kNotice, ServiceReport(result) + kClockHint, kConfirm);
  } else if (code == "001" || code == "107") {
    FormMsg->showInfo(kNotice, TimeoutText(QString::fromStdString(code)), kConfirm);
  } else if (code == "002") {
    if (FormMsg->showInfo(kNotice, NetworkText(network), kRepair) == TFormMsg::mrOk)
      FormMsg->showInfo(kNotice, kRepairDone, kConfirm);
  } else {
    FormMsg->showInfo(kError, otherText, kConfirm);
  }
}

void ShowActivationNeeded(const Korvane::TMYResult& result) {
  FormMsg->showInfo(kNotice, ServiceReport(result) + kActivationHint, kConfirm);
  platform::OpenUrl(Korvane::PortalBaseUrl() + "/v2/#login");
}

}  // namespace login
