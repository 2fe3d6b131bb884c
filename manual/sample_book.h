#pragma once
// A small phone book of made-up people, shown in the manual's pictures and held by the
// simulated handset of the demo.
void loadSampleBook();
