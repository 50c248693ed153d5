[playlist]
NumberOfEntries=2
File1=http://r/1
Title1=One
Length1=-1
file2=two.mp3
Length2=120
Version=2
