@echo off
rem Demo stand-in: takes the infrastructure run-time snapshot into the given folder.
rem   osmu_snapshot.cmd -o <folder>
if defined ZELTRIN_STUB_LOG call :log %*
if not exist "%~2" mkdir "%~2"
> "%~2\osmu_snapshot.txt" echo osmu_snapshot stub output
exit /b %errorlevel%

rem Another stand-in running meanwhile may hold the log for a moment: the line is tried again.
:log
set /a tries=0
:again
(>> "%ZELTRIN_STUB_LOG%" echo osmu_snapshot^|%*) 2>nul && exit /b 0
set /a tries+=1
if %tries% lss 500 goto again
exit /b 1
