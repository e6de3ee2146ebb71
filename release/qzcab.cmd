@echo off
rem Packs a collection run folder into a cabinet beside it, in the machine folder:
rem   qzcab.cmd <run folder> <system directory> <bug folder number> YES|NO <time stamp> <Server Core 0|1>
rem The files are those named in the run folder's QzFilesToCab3.TXT. The cabinet is
rem <machine folder>\<bug>_<node>_<time stamp>.cab; YES deletes the packed files afterwards.
rem <node> is the machine folder's name, or ZELTRIN_CABINET_NODE when a redacted run sets it
rem to the computer name's stand-in.
setlocal EnableExtensions DisableDelayedExpansion
set "RUN=%~1"
if "%RUN:~-1%"=="\" set "RUN=%RUN:~0,-1%"
for %%F in ("%RUN%\..") do set "MACHINE=%%~fF"
for %%F in ("%MACHINE%") do set "NODE=%%~nxF"
if defined ZELTRIN_CABINET_NODE set "NODE=%ZELTRIN_CABINET_NODE%"
call "%~dp0qzpack.cmd" "%RUN%" "%~2" "QzFilesToCab3.TXT" "%MACHINE%\%~3_%NODE%_%~5.cab" "%~4"
exit /b %ERRORLEVEL%
