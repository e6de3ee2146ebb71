@echo off
rem Demo stand-in: gathers the storage manager diagnostics into the given folder.
rem   nld_diag.cmd <folder>
if defined ZELTRIN_STUB_LOG call :log %*
if not exist "%~1" mkdir "%~1"
> "%~1\nld_diag.txt" echo nld_diag stub output
exit /b %errorlevel%

rem Another stand-in running meanwhile may hold the log for a moment: the line is tried again.
:log
set /a tries=0
:again
(>> "%ZELTRIN_STUB_LOG%" echo nld_diag^|%*) 2>nul && exit /b 0
set /a tries+=1
if %tries% lss 500 goto again
exit /b 1
