@echo off
rem Packs the cluster snapshot folder of a collection run into a cabinet in the run folder:
rem   qzhacab.cmd <run folder>\clusnap <system directory> <bug folder number> YES|NO <time stamp> <Server Core 0|1>
rem The files are those named in the snapshot folder's QzHAFilesToCab3.TXT. The cabinet is
rem <run folder>\<bug>_<node>_<time stamp>_HA.cab, so the run's own cabinet takes it in later;
rem YES deletes the packed snapshot files afterwards.
setlocal EnableExtensions DisableDelayedExpansion
set "SNAPSHOTS=%~1"
if "%SNAPSHOTS:~-1%"=="\" set "SNAPSHOTS=%SNAPSHOTS:~0,-1%"
for %%F in ("%SNAPSHOTS%\..") do set "RUN=%%~fF"
for %%F in ("%RUN%\..") do set "MACHINE=%%~fF"
for %%F in ("%MACHINE%") do set "NODE=%%~nxF"
call "%~dp0qzpack.cmd" "%SNAPSHOTS%" "%~2" "QzHAFilesToCab3.TXT" "%RUN%\%~3_%NODE%_%~5_HA.cab" "%~4"
exit /b %ERRORLEVEL%
