#include "app/core/demo_handset.h"

#include "app/core/settings.h"
#include "manual/sample_book.h"

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
    if (portIndex_ >= 0)
        overridePortDevice(portIndex_, QString());
    handset_.stop();
}

bool DemoHandset::attach(int portIndex)
{
    if (!handset_.start())
        return false;
    portIndex_ = portIndex;
    overridePortDevice(portIndex, handset_.devicePath());
    return true;
}
