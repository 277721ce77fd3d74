#include "update/ad_pool.h"

#include <cstdlib>
#include <ctime>

#include "base/split_list.h"
#include "update/link_item.h"

AdPool::AdPool() { std::srand(static_cast<unsigned>(std::time(nullptr))); }

void AdPool::SetAds(std::string strAds) {
  if (strAds.empty()) return;
  strAds.push_back(';');
  for (const std::string& piece : SplitList(strAds, ';')) {
    LinkItem item = SplitLinkItem(piece);
    ads_.push_back(Ad{std::move(item.strText), std::move(item.strUrl)});
  }
}

Ad AdPool::PickAd() const {
  if (ads_.empty()) return Ad{};
  return ads_[static_cast<std::size_t>(std::rand()) % ads_.size()];
}
