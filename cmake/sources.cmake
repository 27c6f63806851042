# Sources of the program, split by where they build.

# Portable: builds natively on Linux and for Windows.
set(TIVORRA_CORE_SOURCES
  src/controls/controls.cpp
  src/controls/dispatcher.cpp
  src/engine/alarm_check.cpp
  src/engine/alarm_rule.cpp
  src/engine/alarm_volume.cpp
  src/engine/awake_hold.cpp
  src/engine/next_due.cpp
  src/engine/snoozes.cpp
  src/engine/clock_sample.cpp
  src/engine/time_value.cpp
  src/engine/wake_up_form.cpp
  src/controls/media_player.cpp
  src/platform/clock.cpp
  src/platform/errors.cpp
  src/platform/power.cpp
  src/platform/replace_file.cpp
  src/platform/instance_name.cpp
  src/platform/run_value.cpp
  src/platform/wake_timer.cpp
  src/store/alarm_file.cpp
  src/store/alarm_store.cpp
  src/store/auto_load.cpp
  src/store/cp1251.cpp
  src/store/settings.cpp
  src/store/signal_settings.cpp
  src/store/program_state.cpp
  src/ui/file_reports.cpp
  src/ui/main_form.cpp
  src/ui/alarm_list.cpp
  src/ui/alarm_editor.cpp
  src/ui/music_picker.cpp
  src/ui/about_dialog.cpp
  src/ui/settings_dialog.cpp
  src/ui/tray.cpp
  src/ui/missed_form.cpp
  src/ui/ringing.cpp
)

# The Linux halves of the services.
set(TIVORRA_POSIX_SOURCES
  src/platform/file_io_posix.cpp
)

# The Win32 halves.
set(TIVORRA_WIN32_SOURCES
  src/platform/win32/clock_win32.cpp
  src/platform/win32/wake_timer_win32.cpp
  src/platform/win32/file_io_win32.cpp
  src/platform/win32/shell_win32.cpp
  src/platform/win32/file_dialogs_win32.cpp
  src/platform/win32/regional_win32.cpp
  src/platform/win32/program_path.cpp
  src/platform/win32/single_instance_win32.cpp
  src/platform/win32/system_libraries.cpp
  src/platform/win32/power_win32.cpp
  src/platform/win32/audio_output_win32.cpp
  src/controls/win32/mci_backend.cpp
  src/platform/win32/run_value_win32.cpp
  src/controls/win32/app_window_win32.cpp
  src/controls/win32/message_boxes_win32.cpp
  src/controls/win32/win32_backend.cpp
  src/controls/win32/late_peer.cpp
  src/controls/win32/win32_common.cpp
  src/controls/win32/form_peer.cpp
  src/controls/win32/button_peer.cpp
  src/controls/win32/drawn_peer.cpp
  src/controls/win32/edit_peer.cpp
  src/controls/win32/list_box_peer.cpp
  src/controls/win32/combo_box_peer.cpp
  src/controls/win32/tab_control_peer.cpp
  src/controls/win32/date_time_peer.cpp
  src/controls/win32/shell_peers.cpp
)
