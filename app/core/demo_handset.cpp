#include "app/core/demo_handset.h"

#include "app/core/sample_book.h"
#include "app/core/settings.h"

#include <memory>

DemoHandset::DemoHandset(Settings& settings) : settings_(settings)
{
    // A TelBook is too big for the stack of every caller.
    auto sample = std::make_unique<TelBook>();
    loadSampleBook(*sample);
    handset_.withHandset([&](SimulatedHandset& h) { h.holdBook(*sample); });
}

DemoHandset::~DemoHandset()
{
    if (attached_)
        settings_.overridePortInUse(QString());
    handset_.stop();
}

bool DemoHandset::attach()
{
    if (!handset_.start())
        return false;
    attached_ = true;
    settings_.overridePortInUse(handset_.devicePath());
    return true;
}
