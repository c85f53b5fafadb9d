// The NT service record (driver_state.h): what the INF says about the service that an NT
// registration installs.
//
//   "Version"         Provider, ClassGUID, Class
//   "Manufacturer"    its first line: the manufacturer (key) and the model section (value 1)
//   model section     its first line: the description (key) and the install section (value 1)
//   <install>.Services   an "AddService" line: service name, flags, service-install section,
//                        event-log section (values 1 to 4)
//   service-install   ServiceType, StartType, ErrorControl (numbers), LoadOrderGroup,
//                     ServiceBinary (texts; the binary kept from "System32" on)
#pragma once

namespace infengine {

// Reads the record of the first "AddService" line when the record is marked first, else of
// the next "AddService" line after the one read last. False when the INF has no manufacturer
// or model line, or there is no (further) "AddService" line with a service name.
bool readNtServiceRecord();

}  // namespace infengine
