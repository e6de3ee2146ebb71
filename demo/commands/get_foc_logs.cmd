@echo off
rem Demo stand-in: writes the failover cluster log into the given folder.
rem   get_foc_logs.cmd <folder> <1 on Windows 8 or later, else 0>
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo get_foc_logs^|%*
if not exist "%~1" mkdir "%~1"
> "%~1\CLUSTER.LOG" echo get_foc_logs stub output (Windows 8 or later: %~2)
if exist "%SystemRoot%\Cluster\Reports\Cluster.log" type "%SystemRoot%\Cluster\Reports\Cluster.log" >> "%~1\CLUSTER.LOG"
