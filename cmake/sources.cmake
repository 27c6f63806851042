# Sources of the program, one library per layer. Each layer may use only
# itself and the layers below it:
#   platform
#   store, controls      (each on platform alone)
#   engine               (on store and platform; never on controls)
#   ui                   (on engine and controls)
#   app, the executable  (on ui)
# scripts/check-layers.sh checks the includes against this graph.

# The operating system's services, dates and files.
set(TIVORRA_PLATFORM_SOURCES
  src/platform/callback_boundary.cpp
  src/platform/clock.cpp
  src/platform/date_time.cpp
  src/platform/decimal_text.cpp
  src/platform/errors.cpp
  src/platform/instance_name.cpp
  src/platform/power.cpp
  src/platform/random.cpp
  src/platform/replace_file.cpp
  src/platform/run_value.cpp
  src/platform/wake_timer.cpp
)

set(TIVORRA_PLATFORM_POSIX_SOURCES
  src/platform/file_io_posix.cpp
  src/platform/random_posix.cpp
)

set(TIVORRA_PLATFORM_WIN32_SOURCES
  src/platform/win32/audio_output_win32.cpp
  src/platform/win32/clock_win32.cpp
  src/platform/win32/date_time_win32.cpp
  src/platform/win32/file_io_win32.cpp
  src/platform/win32/hidden_window.cpp
  src/platform/win32/contrast_win32.cpp
  src/platform/win32/dark_apps_win32.cpp
  src/platform/win32/power_win32.cpp
  src/platform/win32/program_path.cpp
  src/platform/win32/random_win32.cpp
  src/platform/win32/regional_win32.cpp
  src/platform/win32/run_value_win32.cpp
  src/platform/win32/shell_win32.cpp
  src/platform/win32/single_instance_win32.cpp
  src/platform/win32/system_libraries.cpp
  src/platform/win32/tickers_win32.cpp
  src/platform/win32/wake_timer_win32.cpp
)

# The alarm tables, the settings and the program's files.
set(TIVORRA_STORE_SOURCES
  src/store/alarm_file.cpp
  src/store/alarm_store.cpp
  src/store/auto_load.cpp
  src/store/cp1251.cpp
  src/store/program_state.cpp
  src/store/settings.cpp
  src/store/signal_settings.cpp
  src/store/days_off.cpp
)

# Windows, controls, the dispatcher and the media player.
set(TIVORRA_CONTROLS_SOURCES
  src/controls/components.cpp
  src/controls/control.cpp
  src/controls/dispatcher.cpp
  src/controls/form.cpp
  src/controls/media_player.cpp
  src/controls/palette.cpp
)

set(TIVORRA_CONTROLS_WIN32_SOURCES
  src/controls/win32/app_window_win32.cpp
  src/controls/win32/button_peer.cpp
  src/controls/win32/combo_box_peer.cpp
  src/controls/win32/dark_theme.cpp
  src/controls/win32/date_time_peer.cpp
  src/controls/win32/accessible.cpp
  src/controls/win32/drawn_peer.cpp
  src/controls/win32/edit_peer.cpp
  src/controls/win32/file_dialogs_win32.cpp
  src/controls/win32/form_peer.cpp
  src/controls/win32/late_peer.cpp
  src/controls/win32/list_box_peer.cpp
  src/controls/win32/mci_backend.cpp
  src/controls/win32/message_boxes_win32.cpp
  src/controls/win32/shell_peers.cpp
  src/controls/win32/tab_control_peer.cpp
  src/controls/win32/win32_backend.cpp
  src/controls/win32/win32_common.cpp
)

# An alarm's life from due to done, without a window.
set(TIVORRA_ENGINE_SOURCES
  src/engine/alarm_check.cpp
  src/engine/alarm_days.cpp
  src/engine/alarm_rule.cpp
  src/engine/alarm_volume.cpp
  src/engine/awake_hold.cpp
  src/engine/clock_sample.cpp
  src/engine/locked_screen.cpp
  src/engine/missed_alarms.cpp
  src/engine/next_due.cpp
  src/engine/random_tune.cpp
  src/engine/ring_session.cpp
  src/engine/ring_sound.cpp
  src/engine/skips.cpp
  src/engine/snoozes.cpp
)

# The program's windows.
set(TIVORRA_UI_SOURCES
  src/ui/about_dialog.cpp
  src/ui/days_off_dialog.cpp
  src/ui/alarm_editor.cpp
  src/ui/alarm_list.cpp
  src/ui/file_reports.cpp
  src/ui/main_window.cpp
  src/ui/missed_window.cpp
  src/ui/music_picker.cpp
  src/ui/ring_presenter.cpp
  src/ui/settings_dialog.cpp
  src/ui/tray.cpp
  src/ui/wake_up_window.cpp
)
