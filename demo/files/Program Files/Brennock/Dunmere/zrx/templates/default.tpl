[replication]
mode=asynchronous
link=none
