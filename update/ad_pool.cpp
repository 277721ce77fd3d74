#include "update/ad_pool.h"

#include <cstdlib>
#include <ctime>

#include "settings/path_helper.h"
#include "update/link_item.h"

AdPool::AdPool() { std::srand(static_cast<unsigned>(std::time(nullptr))); }

void AdPool::SetAds(std::string strAds) {
  if (strAds.empty()) return;
  strAds.push_back(';');
  std::vector<std::string> pieces(PathHelper::kMaxListItems);
  int count = 0;
  PathHelper().SplitList(strAds, ';', pieces.data(), count);
  for (int i = 0; i < count; ++i) {
    LinkItem item = SplitLinkItem(pieces[static_cast<std::size_t>(i)]);
    ads_.push_back(Ad{std::move(item.strText), std::move(item.strUrl)});
  }
}

Ad AdPool::PickAd() const {
  if (ads_.empty()) return Ad{};
  return ads_[static_cast<std::size_t>(std::rand()) % ads_.size()];
}
