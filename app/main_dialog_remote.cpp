// MainDialog: the one-time display of the update check's result.
#include "app/main_dialog.h"
#include "res/resource.h"
#include "update/link_item.h"
#include "update/version_notice.h"

void MainDialog::ShowRemoteConfig() {
  if (!remote_config_.IsLoaded()) {
    // Offline: nothing will come once the worker has given up, so the window
    // stops waking up a hundred times a second for it.
    if (remote_config_.HasGivenUp()) StopTimer(kUpdateCheckTimer);
    return;
  }
  StopTimer(kUpdateCheckTimer);

  const std::vector<LinkItem> items = SplitScrollItems(remote_config_.strScrollText);
  for (const LinkItem& item : items) {
    if (item.bLink) {
      scroll_text_.AddLinkItem(item.strText, item.strUrl);
    } else {
      scroll_text_.AddItem(item.strText);
    }
  }
  if (!items.empty()) scroll_text_.StartScrolling();

  const VersionNotice notice = MakeVersionNotice(remote_config_.nVersion);
  // Left of the caption buttons now: the label takes its template width again.
  HWND version = GetDlgItem(hwnd(), IDC_MAIN_VERSION);
  RECT r{};
  GetWindowRect(version, &r);
  SetWindowPos(version, nullptr, notice.x, notice.y, version_label_width_, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  strVersionText = notice.strText;
  if (notice.bDownloadLink && download_link_.hwnd() == nullptr) {
    download_link_.Create(hwnd(), RECT{kDownloadLinkRect.left, kDownloadLinkRect.top, kDownloadLinkRect.right,
                                       kDownloadLinkRect.bottom});
    download_link_.SetTransparent();
    download_link_.SetLinkText(kDownloadLinkText);
    download_link_.SetLinkTarget(remote_config_.strDownUrl);
  }

  if (!remote_config_.strTextAd.empty()) ad_pool_.SetAds(remote_config_.strTextAd);
  UpdateData(false);
}
