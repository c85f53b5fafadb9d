# The driver parts of the INF engine (device identity and PCI keys, version and system checks,
# driver registration and removal, installation status) and their exports. Included once,
# after tunara_infengine (and, in the win32 flavours, hvinf) exist.
include_guard(GLOBAL)

set(infengine_driver_sources
  administrator.cpp
  device_identity.cpp
  directx_version.cpp
  driver_registration.cpp
  driver_registration_9x.cpp
  driver_registration_nt.cpp
  driver_removal.cpp
  driver_state.cpp
  file_versions.cpp
  free_instance.cpp
  id_text.cpp
  installation_status.cpp
  legacy_key.cpp
  nt_service_record.cpp
  pci_keys.cpp
  pci_scan.cpp
  preinstall_slots.cpp
  registration_values.cpp)
list(TRANSFORM infengine_driver_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
target_sources(tunara_infengine PRIVATE ${infengine_driver_sources})
if(TARGET hvinf)
  target_sources(hvinf PRIVATE ${CMAKE_CURRENT_LIST_DIR}/exports_driver.cpp)
endif()
