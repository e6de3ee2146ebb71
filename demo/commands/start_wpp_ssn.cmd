@echo off
rem Demo stand-in: starts the boot-time WPP trace session of the QzIO and QDSM drivers again.
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo start_wpp_ssn^|%*
echo start_wpp_ssn: WPP boot session QzIoBoot started
