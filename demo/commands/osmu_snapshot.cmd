@echo off
rem Demo stand-in: takes the infrastructure run-time snapshot into the given folder.
rem   osmu_snapshot.cmd -o <folder>
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo osmu_snapshot^|%*
if not exist "%~2" mkdir "%~2"
> "%~2\osmu_snapshot.txt" echo osmu_snapshot stub output
