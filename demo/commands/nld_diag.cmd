@echo off
rem Demo stand-in: gathers the storage manager diagnostics into the given folder.
rem   nld_diag.cmd <folder>
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo nld_diag^|%*
if not exist "%~1" mkdir "%~1"
> "%~1\nld_diag.txt" echo nld_diag stub output
