@echo off
rem Demo stand-in: gathers the boot-time WPP traces. It is given no target, so it keeps them
rem in the temporary folder, where the real tool leaves them too.
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo get_wpp_logs^|%*
if not exist "%TEMP%\qzwpp" mkdir "%TEMP%\qzwpp"
> "%TEMP%\qzwpp\QzIoBoot.etl.txt" echo get_wpp_logs stub output
echo get_wpp_logs: boot traces in "%TEMP%\qzwpp"
