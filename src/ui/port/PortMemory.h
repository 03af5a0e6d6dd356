#pragma once
#include <QString>

namespace vem {

class TSerial;

// The chosen port and its line settings, kept between starts: the configuration text and the
// port's device path (port numbers depend on the order ports are first seen).
void savePortSettings(const TSerial& serial);
// At start, after the component has its program defaults. A stored port that is absent keeps
// the default port; so does a port named in VEM_PORT, which wins over the stored one.
void restorePortSettings(TSerial& serial);

}  // namespace vem
