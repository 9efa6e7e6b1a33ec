#include "planner/gelernter_tisch.h"

#include <mutex>

namespace {

std::mutex mutex;
std::shared_ptr<const GelernterTisch> aktuell;

}  // namespace

void SetzeGelernterTisch(std::shared_ptr<const GelernterTisch> t) {
    std::lock_guard sperre(mutex);
    aktuell = std::move(t);
}

std::shared_ptr<const GelernterTisch> GelernterTischJetzt() {
    std::lock_guard sperre(mutex);
    return aktuell;
}
