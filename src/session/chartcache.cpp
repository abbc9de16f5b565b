#include "session/chartcache.h"

#include "session/session.h"

namespace vistrel {

bool ChartCache::update(const Session &session) {
    const CalcState &s = session.state();
    const Key key{session.controls().modelListVersion,
                  s.modelIndex,
                  s.zoomEnd,
                  s.aspectWidth,
                  s.aspectHeight,
                  s.unit};
    if (key_ == key)
        return false;
    key_ = key;
    chart_ = session.chart();
    return true;
}

} // namespace vistrel
