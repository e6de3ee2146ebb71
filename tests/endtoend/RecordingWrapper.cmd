@echo off
rem Test wrapper installed in place of a shipped command file: records its command line in
rem the stand-ins' log, then runs the shipped file (renamed <name>.shipped.cmd) unchanged.
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo %~n0^|%*
call "%~dp0%~n0.shipped.cmd" %*
exit /b %ERRORLEVEL%
