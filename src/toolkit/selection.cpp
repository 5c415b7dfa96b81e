// selection.cpp - the host's object selection turned into entity ids.
#include "toolkit/selection.h"

#include "adslib.h"

namespace toolkit {

SelectionResult selectObjects(std::vector<AcDbObjectId>& ids) {
  ads_name set = {0, 0};
  const int result = acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
  if (result == RTCAN) return SelectionResult::kCancelled;
  if (result != RTNORM) return SelectionResult::kEmpty;
  long length = 0;
  acedSSLength(set, &length);
  for (long i = 0; i < length; ++i) {
    ads_name entity = {0, 0};
    AcDbObjectId id;
    if (acedSSName(set, i, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk) ids.push_back(id);
  }
  acedSSFree(set);
  return ids.empty() ? SelectionResult::kEmpty : SelectionResult::kSelected;
}

}  // namespace toolkit
