@echo off
rem Demo stand-in: stops the boot-time WPP trace session of the QzIO and QDSM drivers.
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo stop_wpp_ssn^|%*
echo stop_wpp_ssn: WPP boot session QzIoBoot stopped
