#pragma once
// The advertisement links announced by the remote configuration. The main
// window fills the pool once, when the document has arrived; the add-event
// dialog and the reminder popup each show one pair, chosen at random, when
// they open. User-interface thread only.
#include <string>
#include <vector>

#include "base/ad.h"

class AdPool {
 public:
  // Seeds the runtime's random generator (srand) with the time in seconds.
  AdPool();
  virtual ~AdPool() = default;

  // Appends the pairs of an advertisement list ("textad"): items separated by
  // ";", the last one needing no ";" (so a list that ends in ";" gains one
  // empty pair), each a text or text "~" target. At most 100 items are
  // taken; the rest are dropped. An empty list adds nothing.
  void SetAds(std::string strAds);

  // A pair chosen by rand() % count, or two empty texts from an empty pool.
  Ad PickAd() const;

  const std::vector<Ad>& ads() const { return ads_; }

 private:
  std::vector<Ad> ads_;
};
