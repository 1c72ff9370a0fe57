# gendict - writes data/namedict.txt, the dictionary of English names (see __main__.py).
