#include "app/core/demo_handset.h"

#include "app/core/sample_book.h"
#include "app/core/settings.h"

#include <memory>

DemoHandset::DemoHandset()
{
    // A TelBook is too big for the stack of every caller.
    auto sample = std::make_unique<TelBook>();
    loadSampleBook(*sample);
    handset_.withHandset([&](SimulatedHandset& h) { h.holdBook(*sample); });
}

DemoHandset::~DemoHandset()
{
    if (attached_)
        overridePortInUse(QString());
    handset_.stop();
}

bool DemoHandset::attach()
{
    if (!handset_.start())
        return false;
    attached_ = true;
    overridePortInUse(handset_.devicePath());
    return true;
}
